// The program's one kind of message box.
#pragma once

class QString;

namespace pevrand
{

// Shows `text` in a message box modal to the application: one OK button, no icon, the
// program's title as caption. Returns once the user has pressed OK.
void ShowProgramMessage(const QString &text);

} // namespace pevrand
