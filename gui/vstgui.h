#pragma once
// The whole toolkit in one include.
#include "gui/cbitmap.h"
#include "gui/cdrawcontext.h"
#include "gui/cfileselector.h"
#include "gui/cframe.h"
#include "gui/controls.h"
#include "gui/coptionmenu.h"
