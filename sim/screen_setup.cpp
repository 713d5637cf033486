#include "sim/screen_setup.h"

#include <fstream>

namespace hvxsim {

namespace {

bool write_file(const std::string& path, const std::string& bytes, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write \"" + path + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool set_up_screen(const sim_options& options, instrument_state& state, std::string& error)
{
    screen_state& screen = state.screen;
    const screen_size size = screen_size_of(options.instrument_key);
    if (options.screen_path.empty()) {
        screen.picture = test_picture(size);
    } else if (!load_screen_picture(options.screen_path, size, screen.picture, error)) {
        error = "--screen: " + error;
        return false;
    }
    screen.stop_after = options.screen_stop_after;
    screen.short_line = options.screen_short_line;
    screen.garble_line = options.screen_garble_line;
    return true;
}

bool write_screen_files(const sim_options& options, const instrument_state& state, std::string& error)
{
    if (!options.write_screen_path.empty() &&
        !write_file(options.write_screen_path, screen_bitmap_file(state.screen.picture, false), error))
        return false;
    return options.write_screen_mono_path.empty() ||
           write_file(options.write_screen_mono_path, screen_bitmap_file(state.screen.picture, true), error);
}

}  // namespace hvxsim
