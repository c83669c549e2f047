#pragma once
// The application: runs the main dialog and ends when it closes.

#include "afx.h"

class CIdiomApp : public CWinApp {
public:
    CIdiomApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
