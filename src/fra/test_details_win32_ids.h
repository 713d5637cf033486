// Dialog and control ids of the two "Test Details" dialogs. Shared by the
// resource script and the C++ code, so plain #defines only.
#pragma once

#define IDD_FRA_TEST_DETAILS 4200
#define IDD_LCR_TEST_DETAILS 4201

#define IDC_TD_SWEEP_TYPE 4210
#define IDC_TD_STEPS 4211
#define IDC_TD_START 4212
#define IDC_TD_END 4213
#define IDC_TD_CYCLES_LABEL 4214
#define IDC_TD_CYCLES 4215
#define IDC_TD_SPEED_LABEL 4216
#define IDC_TD_SPEED 4217
#define IDC_TD_WINDOW 4218
#define IDC_TD_AFTER_LABEL 4219
#define IDC_TD_KEEP_ON 4220
#define IDC_TD_TURN_OFF 4221
#define IDC_TD_SET_START 4222
#define IDC_TD_REPEAT_GROUP 4223
#define IDC_TD_INTERVAL_LABEL 4224
#define IDC_TD_INTERVAL 4225
#define IDC_TD_TESTS_LABEL 4226
#define IDC_TD_TESTS 4227
#define IDC_TD_TOTAL_TIME 4228
#define IDC_TD_DB_GROUP 4229
#define IDC_TD_SAVE 4230
#define IDC_TD_SESSION_LABEL 4231
#define IDC_TD_SESSION 4232
#define IDC_TD_NEW_SESSION 4233
#define IDC_TD_PROJECT_LABEL 4234
#define IDC_TD_PROJECT 4235
#define IDC_TD_TEST_NAME_LABEL 4236
#define IDC_TD_TEST_NAME 4237
#define IDC_TD_DB_NAME 4238
#define IDC_TD_DESCRIPTION_LABEL 4239
#define IDC_TD_DESCRIPTION 4240
#define IDC_TD_CELL9A 4241

// Height of the repeat section in dialog units: the dialog grows by it when
// "Repeating Sweep" is chosen and everything below the section moves down.
#define TD_REPEAT_SECTION_HEIGHT 52
