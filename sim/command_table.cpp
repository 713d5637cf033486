#include "sim/command_table.h"

#include "sim/identity_commands.h"

namespace hvxsim {

namespace {

constexpr command_entry commands[] = {
    {"*IDN?", identity_query},
};

}  // namespace

std::span<const command_entry> command_table()
{
    return commands;
}

}  // namespace hvxsim
