// The program's one kind of message box.
#pragma once

class QString;
class QWidget;

namespace pevrand
{

// Shows `text` in a message box modal to the application: one OK button, no icon, the
// program's title as caption. The box belongs to `parent`, the window that raised it: it opens
// over that window and stays in front of it. Returns once the user has pressed OK.
void ShowProgramMessage(QWidget *parent, const QString &text);

} // namespace pevrand
