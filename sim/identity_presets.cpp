#include "sim/identity_presets.h"

namespace hvxsim {

namespace {

constexpr identity_preset presets[] = {
    {"hvxa", "ZELVORIAN", "HVXA1735", "10234", "2.17", "HVX family A", "ak-low-current"},
    {"hvxab", "ZELVORIAN", "HVXAB1735", "10388", "2.17", "HVX family A, AB model code", "ak-standard"},
    {"hvxb", "ZELVORIAN", "HVXB1735", "11052", "2.21", "HVX family B", "ak-standard"},
    {"hvxc", "ZELVORIAN", "HVXC1740", "12017", "3.05", "HVX family C", "ck-two-channel"},
    {"hvxcm", "ZELVORIAN", "HVXCM1740", "12460", "3.05", "HVX family C, CM variant", "ck-three-channel"},
    {"trxa", "ZELVORIAN", "TRXA2210", "20311", "1.42", "transformer analyser A", ""},
    {"trxb", "ZELVORIAN", "TRXB2210", "20477", "1.44", "transformer analyser B", ""},
    {"oktaven", "OKTAVEN", "TRXA2210", "30105", "1.40", "transformer analyser A, second maker name", ""},
    {"axp1", "Quelvar", "AXP1-100", "40021", "5.3", "power analyser, one to three phases", ""},
    {"axp4", "Quelvar", "AXP4-300", "41187", "5.3", "power analyser, four to six channels", ""},
    {"wxe5", "Quelvar", "WXE5", "50930", "1.08", "WXE5 analyser", ""},
    {"qlm", "Quelvar", "QLM2210", "60044", "2.02", "QLM meter", ""},
    {"qca", "Quelvar", "QCA1050", "61215", "2.02", "QCA analyser", ""},
    {"quelvar", "Quelvar", "QCAX-9", "62003", "1.1", "QCAX-9 converter", ""},
    {"volmerq", "ZELVORIAN", "VOLMERQ 40", "70418", "4.0", "accepted maker, model the program does not know", ""},
};

}  // namespace

std::span<const identity_preset> identity_presets()
{
    return presets;
}

const identity_preset* find_identity_preset(std::string_view key)
{
    for (const auto& p : presets) {
        if (p.key == key)
            return &p;
    }
    return nullptr;
}

std::string identity_text(const identity_preset& preset)
{
    std::string text;
    text.append(preset.maker).append(",");
    text.append(preset.model).append(",");
    text.append(preset.serial).append(",");
    text.append(preset.firmware);
    return text;
}

}  // namespace hvxsim
