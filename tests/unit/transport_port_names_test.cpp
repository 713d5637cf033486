// COM port names to device paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "link/serial_port_names.h"
#include "support/temp_folder.h"

namespace {

#ifdef _WIN32

TEST(TransportPortNames, ComNamesBecomeWin32DevicePaths)
{
    EXPECT_EQ(serial_port_device("COM7"), "\\\\.\\COM7");
    EXPECT_EQ(serial_port_device("com12"), "\\\\.\\COM12");
    EXPECT_EQ(serial_port_device("\\\\.\\COM3"), "\\\\.\\COM3");
    EXPECT_EQ(serial_port_device(""), "");
    EXPECT_EQ(serial_port_device(nullptr), "");
}

#else

// CORVEXA2_DOSDEVICES as given for one test, restored afterwards.
class TransportPortNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("CORVEXA2_DOSDEVICES");
        had_old_ = old != nullptr;
        if (had_old_) old_ = old;
        ::unsetenv("CORVEXA2_DOSDEVICES");
    }
    void TearDown() override
    {
        if (had_old_) {
            ::setenv("CORVEXA2_DOSDEVICES", old_.c_str(), 1);
        } else {
            ::unsetenv("CORVEXA2_DOSDEVICES");
        }
        serial_port_alias("COM68", "");
    }
    void use_dosdevices(const std::string& folder) { ::setenv("CORVEXA2_DOSDEVICES", folder.c_str(), 1); }

private:
    bool had_old_ = false;
    std::string old_;
};

TEST_F(TransportPortNames, DefaultNamesAndPaths)
{
    struct name_case {
        const char* name;
        const char* device;
    };
    const name_case cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"com12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},  // a path is used as given
        {"COM0", ""},
        {"COM", ""},
        {"COMX", ""},
        {"COM1A", ""},
        {"LPT1", ""},
        {"", ""},
    };
    for (const name_case& c : cases) EXPECT_EQ(serial_port_device(c.name), c.device) << c.name;
    EXPECT_EQ(serial_port_device(nullptr), "");
}

TEST_F(TransportPortNames, AliasThenDosdevicesThenDefault)
{
    temp_folder folder;
    use_dosdevices(folder.path());
    EXPECT_EQ(serial_port_device("COM68"), folder.path() + "/com68");

    serial_port_alias("com68", "/dev/pts/68");
    EXPECT_EQ(serial_port_device("COM68"), "/dev/pts/68");
    EXPECT_EQ(serial_port_device("COM69"), folder.path() + "/com69");
    serial_port_alias("COM68", "/dev/pts/7");
    EXPECT_EQ(serial_port_device("Com68"), "/dev/pts/7");

    serial_port_alias("COM68", "");
    EXPECT_EQ(serial_port_device("COM68"), folder.path() + "/com68");

    // A variable that names no folder is ignored.
    use_dosdevices(folder.file("missing"));
    EXPECT_EQ(serial_port_device("COM68"), "/dev/ttyS67");
}

#endif

}  // namespace
