#pragma once
// The Turkish message dialogs: title "Bilgi" or "Uyarı", one button "Tamam".

#include <QString>
#include <functional>

enum TMsgDlgType { mtInformation, mtWarning };

QString MessageDlgTitle(TMsgDlgType type);

// Shows a modal message and returns when the user closes it.
void MessageDlg(const QString& text, TMsgDlgType type);

// Replaces the on-screen dialog (tests record the dialogs instead of
// blocking on them); an empty function restores the real one.
using TMessageDlgHook = std::function<void(const QString& title, const QString& text, TMsgDlgType type)>;
void SetMessageDlgHook(TMessageDlgHook hook);
