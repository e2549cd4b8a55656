// fx/docview.h - the document/view half of the framework: frames, control
// bars, documents, views, templates, splitters, printing and preview, and
// the HTML view.
#pragma once

#include "fx/dvdefs.h"
#include "fx/ctrlbar.h"
#include "fx/toolbar.h"
#include "fx/frame.h"
#include "fx/mdi.h"
#include "fx/document.h"
#include "fx/view.h"
#include "fx/doctempl.h"
#include "fx/splitter.h"
#include "fx/print.h"
#include "fx/preview.h"
#include "fx/htmlview.h"
