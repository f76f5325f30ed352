// The runtime's message box. Every message box of the program goes through
// here, so tests can answer it without a modal loop.
#pragma once

#include <QString>

#include <functional>

namespace forms {

enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows `prompt` and returns the button pressed. The title is the
// application's display name unless one is given. A long path wraps
// instead of being clipped.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = {});

// Test seam: while set, MsgBox shows nothing and returns what the hook
// returns for the prompt.
struct MsgBoxCall
{
    QString prompt;
    int style;
    QString title;
};
void setMsgBoxHook(std::function<int(const MsgBoxCall &)> hook);

} // namespace forms
