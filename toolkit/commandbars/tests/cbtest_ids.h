// Ids of the command-bar test resources.
#pragma once

#define IDR_TEST_MENU 128
#define IDR_TEST_TOOLBAR 311
#define ID_TEST_OPEN 57601
#define ID_TEST_SAVE 57603
#define ID_TEST_EXIT 57665
#define ID_TEST_UNDO 57643
#define ID_TEST_ANSI 57701
#define ID_TEST_UTF8 57702
// A document type of its own: menu, icon and document strings.
#define IDR_TEST_DOCMENU 130
