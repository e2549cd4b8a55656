// Ids of the status-bar test resources (the editor's indicator ids).
#pragma once

#define ID_SB_LINECOL 130
#define ID_SB_PROGRESS 131
#define ID_SB_INS 59598
#define ID_SB_CAPS 59137
#define ID_SB_NUM 59138
#define ID_SB_SCRL 59139
#define ID_SB_FIRST 900
#define ID_SB_SECOND 901
#define ID_SB_BUTTON 902
#define ID_SB_NOSTRING 903
