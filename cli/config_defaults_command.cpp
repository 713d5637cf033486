// config defaults TYPE: the default table of the model that serves
// instrument type 7 or 9, printed without any instrument in the form of
// "config read", so users can see what a model holds before a connection.
#include <cstdio>
#include <memory>
#include <string>

#include "cli_context.h"
#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "config/parameter_names.h"
#include "config/parameter_names_listing.h"
#include "config_commands.h"

namespace {

// A fresh model of a type that has a model of its own, or nullptr.
std::unique_ptr<instrument_config> model_for_type(int instrument_type)
{
    switch (instrument_type) {
    case 7:
        return std::make_unique<hvx_cfg_ak>();
    case 9:
        return std::make_unique<hvx_cfg_ck>();
    default:
        return nullptr;
    }
}

}  // namespace

int run_config_defaults(cli_context& context)
{
    if (context.args.size() != 1) {
        return cli_usage_error(context, "config defaults needs one instrument type: 7 or 9");
    }
    const std::string& word = context.args[0];
    const int instrument_type = word == "7" ? 7 : word == "9" ? 9 : 0;
    const std::unique_ptr<instrument_config> model = model_for_type(instrument_type);
    if (!model) {
        return cli_usage_error(context, "config defaults: no model of its own for instrument type '" + word +
                                            "'; use 7 or 9");
    }
    const std::string lines = named_parameter_lines(*model, parameter_names_for_type(instrument_type));
    std::fputs(lines.c_str(), context.out);
    return CLI_OK;
}
