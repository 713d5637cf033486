#include "analysis_arguments.h"

std::string s_analysis_words::value(const char* option) const
{
    const auto found = values.find(option);
    return found == values.end() || found->second.empty() ? std::string() : found->second.front();
}

bool parse_analysis_words(const cli_context& context, const std::vector<s_analysis_option>& options,
                          std::size_t max_files, s_analysis_words& words, int& status)
{
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            if (words.files.size() == max_files) {
                status = cli_usage_error(context, "unexpected word " + word);
                return false;
            }
            words.files.push_back(word);
            continue;
        }
        const s_analysis_option* option = nullptr;
        for (const s_analysis_option& known : options) {
            if (word == known.name) {
                option = &known;
            }
        }
        if (option == nullptr) {
            status = cli_usage_error(context, "unknown option " + word);
            return false;
        }
        std::vector<std::string>& given = words.values[word];
        if (!option->repeatable && !given.empty()) {
            status = cli_usage_error(context, word + " is given once only");
            return false;
        }
        if (!option->takes_value) {
            given.emplace_back();
            continue;
        }
        if (i + 1 == args.size() || args[i + 1].empty()) {
            status = cli_usage_error(context, word + " needs a value");
            return false;
        }
        given.push_back(args[++i]);
    }
    return true;
}
