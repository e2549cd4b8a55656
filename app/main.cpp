// The editor's one application object. Start-up runs through the
// framework's WinMain into CQuillmateApp::InitInstance.
#include "quillmateapp.h"

CQuillmateApp theApp;
