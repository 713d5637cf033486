// The settings report of both family models: every heading and line of the
// general sections at the models' defaults, the list of every operation mode,
// lower case by the fixed Windows-1252 table, and the three write_report
// forms giving the same bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "app/cp1252_case.h"
#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "config/settings_report.h"
#include "support/temp_folder.h"

namespace {

const std::string ak_general =
    "Acquisition,mode,normal\r\n"
    ",speed,very slow\r\n"
    ",window,\r\n"
    ",min cycles,1\r\n"
    ",delay,\r\n"
    ",phase reference,ch1\r\n"
    ",filter,normal\r\n"
    ",filter dynamics,auto reset\r\n"
    ",low frequency,off\r\n"
    ",datalog,disabled\r\n"
    ",interval,\r\n"
    ",bandwidth,auto\r\n"
    "Sweep,start,\r\n"
    ",end,\r\n"
    ",steps,0\r\n"
    ",step scale,logarithmic\r\n"
    ",gen. when complete,off\r\n"
    "Trim,ac trim,disabled\r\n"
    ",ac level,\r\n"
    ",tolerance,\r\n"
    "Auxillary,fixture,none\r\n"
    ",lcr head shunt,normal\r\n"
    ",source,w1\r\n"
    ",input 1,w1\r\n"
    ",input 2,w1\r\n"
    ",load,w1\r\n"
    ",winding,w1\r\n"
    ",turns ratio,w1:w2+3\r\n"
    ",lcr head shunt,normal\r\n"
    "Output,amplitude,\r\n"
    ",ceiling,\r\n"
    ",frequency,\r\n"
    ",offset,\r\n"
    ",waveform,sinewave\r\n"
    ",amplitude step,\r\n"
    ",frequency step,\r\n"
    ",output,off\r\n"
    ",amplitude,\r\n"
    "Channel1,input,disabled\r\n"
    ",connection,main (right)\r\n"
    ",minimum range,1mv\r\n"
    ",autoranging,full autorange\r\n"
    ",coupling,ac+dc\r\n"
    ",scale factor,\r\n"
    ",external shunt,\r\n"
    "Channel2,input,disabled\r\n"
    ",connection,main (right)\r\n"
    ",minimum range,1mv\r\n"
    ",autoranging,full autorange\r\n"
    ",coupling,ac+dc\r\n"
    ",scale factor,\r\n"
    ",external shunt,\r\n"
    "System,phase convention,-180\xB0 to 180\xB0\r\n"
    ",low blanking,off\r\n"
    ",graph,dots\r\n"
    ",keyboard beep,off\r\n"
    ",autozero,auto\r\n"
    ",length unit,m\r\n"
    ",shunt,default\r\n"
    ",step message,enabled\r\n"
    ",prog. 1-6 direct,disabled\r\n"
    ",control,v\r\n";

const std::string ck_general =
    "Acquisition,input,2 channels\r\n"
    ",speed,very slow\r\n"
    ",window,0.0000e\r\n"
    ",cycles,1\r\n"
    ",delay,0\r\n"
    ",smoothing,normal\r\n"
    ",smoothing response,auto reset\r\n"
    ",phase reference,channel 1\r\n"
    ",low frequency,off\r\n"
    ",bandwidth,wide\r\n"
    "Sweep,start,\r\n"
    ",end,\r\n"
    ",steps,0\r\n"
    ",step scale,log\r\n"
    "Trim,ac trim,disabled\r\n"
    ",ac level,\r\n"
    ",tolerance,\r\n"
    "Auxillary,device,none\r\n"
    ",lcr head shunt,low\r\n"
    "Output,waveform,sinewave\r\n"
    ",control,v\r\n"
    ",amplitude,1.0000e0\r\n"
    ",amplitude dbm,\r\n"
    ",amplitude step,\r\n"
    ",amplitude step dbm,\r\n"
    ",amplitude ceiling,\r\n"
    ",offset,0.0000e0\r\n"
    ",frequency,1.0000e3\r\n"
    ",step scale,log\r\n"
    ",frequency step,\r\n"
    ",frequency step,\r\n"
    ",phase control,off\r\n"
    ",pulse width,\r\n"
    ",output,off\r\n"
    "Channel1,input,direct\r\n"
    ",autoranging,full autorange\r\n"
    ",minimum range,3mv\r\n"
    ",scale factor,\r\n"
    ",attenuator,\r\n"
    ",coupling,ac+dc\r\n"
    "Channel2,input,direct\r\n"
    ",autoranging,full autorange\r\n"
    ",minimum range,3mv\r\n"
    ",scale factor,\r\n"
    ",attenuator,\r\n"
    ",coupling,ac+dc\r\n"
    "Channel3,input,direct\r\n"
    ",autoranging,full autorange\r\n"
    ",minimum range,3mv\r\n"
    ",scale factor,\r\n"
    ",attenuator,\r\n"
    ",coupling,ac+dc\r\n"
    "System,phase convention,-180\xB0 to 180\xB0\r\n"
    ",phase reference,cosine\r\n"
    ",low blanking,off\r\n"
    ",keyboard beep,disabled\r\n"
    ",autozero,auto\r\n"
    ",prog. 1-6 direct,disabled\r\n"
    ",zoom 2 hi res,disabled\r\n"
    ",scaled range,disabled\r\n"
    ",step message,enabled\r\n";

std::unique_ptr<instrument_config> model_of(char family)
{
    if (family == 'A') {
        return std::make_unique<hvx_cfg_ak>();
    }
    return std::make_unique<hvx_cfg_ck>();
}

TEST(SettingsReport, GeneralSectionsAtTheDefaults)
{
    // At the defaults both models are in mode 0, the RMS voltmeter.
    EXPECT_EQ(settings_report(hvx_cfg_ak()),
              ak_general + "Measurement settings,operation mode,rms voltmeter\r\n,low blanking,off\r\n");
    EXPECT_EQ(settings_report(hvx_cfg_ck()),
              ck_general + "Measurement settings,operation mode,rms voltmeter\r\n,rectified mean,absolute\r\n");
}

TEST(SettingsReport, EveryModeList)
{
    struct mode_case {
        char family;
        int mode;
        int choice_id;  // set to choice_value first (0: none)
        int choice_value;
        int real_id;  // set to real_text first (0: none)
        const char* real_text;
        std::string section;  // what follows the general section
    };
    const mode_case cases[] = {
        {'A', 1, 0, 0, 0, nullptr,
         ",operation mode,frequency response analyser\r\n,ratio,ch2/ch1\r\n,offset,\r\n"
         ",gain/phase margins,disabled\r\n,graph,phase\r\n"},
        // A choice value outside its option list leaves the value field empty.
        {'A', 2, 83, 5, 0, nullptr, ",operation mode,power meter\r\n,integration,\r\n"},
        {'A', 3, 139, 1, 0, nullptr,
         ",operation mode,lcr meter\r\n,parameter,auto\r\n,conditions,auto frequency\r\n,graph,tan \xF0 / qf\r\n"
         ",graph,linear\r\n,sweep,series\r\n,connection,shunt\r\n"},
        // A real value's text is lower-cased too.
        {'A', 4, 179, 2, 181, "1.0000E-3",
         ",operation mode,vector voltmeter\r\n,parameter,in-phase\r\n,offset,1.0000e-3\r\n,scale factor,\r\n"
         ",null meter,manual\r\n,upper limit,\r\n"},
        {'A', 5, 99, 2, 100, "5",
         ",operation mode,harmonic analyser\r\n,scan,series thd\r\n,parameter,%\r\n,harmonic,5\r\n,harmonics,\r\n"
         ",bargraph scale,\r\n"},
        {'A', 6, 121, 10, 127, "2.5000E0",
         ",operation mode,transformer analyser\r\n,parameter,thd\r\n,nominal,2.5000e0\r\n,source,\r\n,load,\r\n"
         ",harmonic,\r\n,parameter,%\r\n,harmonics,\r\n"},
        {'C', 1, 93, 6, 148, "1.0000E1",
         ",operation mode,frequency response analyser\r\n,speed,very slow\r\n,smoothing,normal\r\n"
         ",smoothing response,auto reset\r\n,computation 1,ch2/ch1\r\n,computation 2,ch3 frequency\r\n"
         ",offset,1.0000e1\r\n,gain/phase margins,disabled\r\n"},
        {'C', 2, 87, 1, 0, nullptr,
         ",operation mode,power meter\r\n,var sign,negative lagging\r\n,pf sign,negative leading\r\n"
         ",selected harmonic,2\r\n,difference thd,disabled\r\n"},
        {'C', 3, 0, 0, 146, "-9.0000E1",
         ",operation mode,lcr meter\r\n,parameter,auto\r\n,conditions,auto frequency\r\n,graph,tan \xF0 / qf\r\n"
         ",graph,linear\r\n,sweep,series\r\n,connection,shunt\r\n,phase offset,-9.0000e1\r\n"},
        // In family C, mode 4 is the harmonic analyser and 5 the vector voltmeter.
        {'C', 4, 113, 1, 111, "1.0000E1",
         ",operation mode,harmonic analyser\r\n,computation 1,difference thd\r\n,selected harmonic,2\r\n"
         ",harmonic series up to,20\r\n,current rating,1.0000e1\r\n,voltage bargraph scale,\r\n"
         ",current bargraph scale,\r\n,marker,on\r\n,marker value,\r\n"},
        // "Tan \xD8" lower-cased by the code page's table.
        {'C', 5, 177, 2, 0, nullptr,
         ",operation mode,vector voltmeter\r\n,parameter,tan \xF8\r\n,phase offset,\r\n,scale factor,\r\n"
         ",null meter,auto\r\n,upper limit,\r\n"},
        {'C', 6, 210, 1, 208, "1.0000E-3",
         ",operation mode,oscilloscope\r\n,timebase,1.0000e-3\r\n,trigger level,\r\n,trigger mode,auto\r\n"
         ",trigger polarity,rising edge\r\n,trigger hf reject,off\r\n,pretrigger,25%\r\n,cursors,off\r\n"},
    };
    for (const mode_case& c : cases) {
        SCOPED_TRACE(std::string(1, c.family) + " mode " + std::to_string(c.mode));
        const std::unique_ptr<instrument_config> model = model_of(c.family);
        model->set_value_int(1, c.mode);
        if (c.choice_id != 0) {
            model->set_value_int(c.choice_id, c.choice_value);
        }
        if (c.real_id != 0) {
            model->set_value_text(c.real_id, c.real_text);
        }
        const std::string& general = c.family == 'A' ? ak_general : ck_general;
        EXPECT_EQ(settings_report(*model), general + "Measurement settings" + c.section);
    }
}

TEST(SettingsReport, ModeWithoutAListEndsAfterTheGeneralSection)
{
    // Family C's limit lets parameter 1 hold 7, a mode without a list.
    for (const int mode : {7, -1, 1000}) {
        hvx_cfg_ck model;
        model.set_value_int(1, mode);
        EXPECT_EQ(settings_report(model), ck_general) << mode;
    }
}

TEST(SettingsReport, EveryFormWritesTheSameBytes)
{
    // A "%" must reach a file as it stands, never through a format.
    hvx_cfg_ak model;
    model.set_value_int(1, 5);
    const std::string expected = settings_report(model);
    ASSERT_NE(expected.find(",parameter,%\r\n"), std::string::npos);

    std::stringstream combined;
    model.write_report(&combined);
    EXPECT_EQ(combined.str(), expected);
    model.write_report(static_cast<std::iostream*>(nullptr));

    const temp_folder folder;
    const std::string path = folder.file("report.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    model.write_report(file);
    std::fclose(file);
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, expected);
    model.write_report(static_cast<std::FILE*>(nullptr));

    // The base model has no report.
    instrument_config plain;
    EXPECT_EQ(settings_report(plain), "");
}

TEST(Cp1252Case, EveryUpperCaseLetterAndNothingElse)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string lower = cp1252_lower(all);
    ASSERT_EQ(lower.size(), 256u);
    for (int byte = 0; byte < 256; ++byte) {
        int expected = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            expected = byte + 0x20;
        } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
            expected = byte + 0x10;
        } else if (byte == 0x9F) {
            expected = 0xFF;
        }
        EXPECT_EQ(static_cast<unsigned char>(lower[static_cast<std::size_t>(byte)]), expected) << byte;
    }
}

}  // namespace
