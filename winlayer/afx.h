#pragma once
// The class layer in one include, as the dialogs use it.

#include "afx_string.h"
#include "afx_win.h"
#include "data_exchange.h"
#include "dialog.h"
#include "gdi.h"
#include "list_box.h"
#include "menu.h"
#include "shell.h"
#include "text_conversion.h"
#include "win_app.h"
#include "wnd.h"
