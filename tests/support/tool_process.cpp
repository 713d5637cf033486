#include "support/tool_process.h"

#include "support/child_process.h"

#include <fstream>
#include <iterator>

namespace {

std::string captured(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::erase(text, '\r');
    return text;
}

// The tool's path as the child is started with it (a drive path under Wine).
std::string tool_path()
{
    std::string tool = CORVEXA2_CLI_PATH;
#ifdef _WIN32
    if (!tool.empty() && tool[0] == '/') {
        tool = "Z:" + tool;
    }
    for (char& c : tool) {
        c = c == '/' ? '\\' : c;
    }
#endif
    return tool;
}

}  // namespace

s_tool_run tool_runner::run(const std::vector<std::string>& words)
{
    // Files of their own for every run: a finished child may still hold the last ones.
    const std::string number = std::to_string(runs_++);
    const std::string out = scratch_.file("tool-out" + number + ".txt");
    const std::string err = scratch_.file("tool-err" + number + ".txt");
    s_tool_run result;
    result.status = run_child_process(tool_path(), words, out.c_str(), err.c_str());
    result.out = captured(out);
    result.err = captured(err);
    return result;
}
