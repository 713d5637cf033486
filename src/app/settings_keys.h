// The sections and keys of the main settings file, named once for the code
// that reads them at start and the code that writes them back.
#pragma once

struct s_setting_key {
    const char* section;
    const char* key;
};

inline constexpr s_setting_key setting_created{"Init", "Created"};
inline constexpr s_setting_key setting_database_file{"Init", "DatabaseFile"};
inline constexpr s_setting_key setting_number_format_type{"Settings", "NumFormatType"};
inline constexpr s_setting_key setting_decimal_separator{"Settings", "NumFormatDecimal"};
inline constexpr s_setting_key setting_thousands_separator{"Settings", "NumFormatThousand"};
inline constexpr s_setting_key setting_interface{"Connect", "Interface"};
inline constexpr s_setting_key setting_com_port{"Connect", "ComPort"};
inline constexpr s_setting_key setting_baud_rate{"Connect", "BaudRate"};
inline constexpr s_setting_key setting_ip_address{"Connect", "IPAddr"};
