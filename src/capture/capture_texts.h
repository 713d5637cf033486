// What the screen capture shows and sends, exactly.
#pragma once

inline constexpr const char* CAPTURE_DOWNLOADING_TEXT = "Downloading Screenshot...";
inline constexpr const char* CAPTURE_COMMUNICATION_ERROR_TEXT =
    "A communication error has occured while downloading the screenshot from the instrument";
inline constexpr const char* CAPTURE_COMMUNICATION_ERROR_CAPTION = "Communication Error";
inline constexpr const char* CAPTURE_FAILED_TEXT = "Failed to capture screen data";
inline constexpr const char* CAPTURE_FAILED_CAPTION = "Error";
// A bitmap file of the capture that could not be written (%s: the file),
// with the writer's error code (%d) when there is one.
inline constexpr const char* CAPTURE_FILE_FAILED_TEXT = "Unable to write the bitmap file %s";
inline constexpr const char* CAPTURE_FILE_FAILED_CODE_TEXT = "Unable to write the bitmap file %s\nError Code: %d";
inline constexpr const char* CAPTURE_FILE_FAILED_CAPTION = "Error";
inline constexpr const char* CAPTURE_SAVE_TITLE = "Export to .bmp";
inline constexpr const char* CAPTURE_TITLE_TEXT = "HVX Screen Capture";

inline constexpr const char* CAPTURE_SUSPEND_ON_COMMAND = "SUSPEND,ON\n";
inline constexpr const char* CAPTURE_SUSPEND_OFF_COMMAND = "SUSPEND,OFF\n";
// After a monochrome line that did not come: the reset byte and the byte
// 0x19, each with a line feed.
inline constexpr const char* CAPTURE_RECOVERY_RESET = "\x14\n";
inline constexpr const char* CAPTURE_RECOVERY_END = "\x19\n";
