// Ids of the keyboard-shortcut test resources.
#pragma once

#define IDR_SC_ACCEL 200
#define IDR_SC_MISSING 201
#define ID_SC_SAVE 57603
#define ID_SC_RUN 32800
#define ID_SC_PROPS 32801
#define ID_SC_DEBUG 32802
