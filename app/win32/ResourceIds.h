#pragma once

// Ids the code shares with ZavCoronaUpdate.rc: defines, as the resource compiler reads them too.
#define IDD_QUESTION 200
#define IDD_NOTICE 201
#define IDC_MESSAGE_ICON 100
#define IDC_MESSAGE_TEXT 101
