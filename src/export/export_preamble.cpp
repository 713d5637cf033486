#include "export/export_preamble.h"

#include "link/connection.h"

namespace {

constexpr int info_model = 1;
constexpr int info_serial = 2;
constexpr int info_version = 3;
constexpr std::size_t info_size = 256;

std::string info_item(const s_connection& connection, int item)
{
    char text[info_size] = {};
    try {
        link_get_info(&connection, item, text);
    } catch (const NoConStrException&) {
        return "";
    }
    text[info_size - 1] = '\0';
    return text;
}

}  // namespace

s_export_identity export_identity_of(const s_connection& connection)
{
    return {info_item(connection, info_model), info_item(connection, info_serial),
            info_item(connection, info_version), ""};
}

std::string export_preamble_text(const s_export_identity& identity, const std::string& report_text)
{
    return "Instrument Configuration\r\n------------------------\r\nFile Format,ZelvV2\r\n"
           "Instrument,type," + identity.model + "\r\n,serial number," + identity.serial +
           "\r\n,firmware version," + identity.version + "\r\n,calibration," + identity.calibration + "\r\n" +
           report_text;
}
