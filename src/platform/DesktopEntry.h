// Desktop entry files (the freedesktop ".desktop" key files): the Exec key's quoting and the
// per-user autostart entry. Window-free, so the rules are tested without a display.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace DesktopEntry {

// One word of an Exec command line before the key file's string escaping: quoted in double
// quotes when it holds a reserved character (or is empty), with '"', '`', '$' and '\' escaped
// by a backslash inside the quotes; every '%' is doubled so it is not read as a field code.
QString QuoteExecArgument(const QString& argument);

// The value of an Exec key that runs `commandLine` (the program, then its arguments): each
// word quoted, then the whole escaped as a key file string ('\' doubled, tab, newline and
// carriage return as \t, \n, \r). Empty when the line cannot be written: an empty command
// line, or a control character that a key file cannot hold.
std::optional<QString> ExecValue(const QStringList& commandLine);

// The command line a desktop runs for an Exec value: string escapes undone, the line split
// into words, quoting undone, "%%" read as '%' and a word that is a lone field code dropped
// (no files are passed at log-in). Empty for a value that breaks the quoting rules.
std::optional<QStringList> SplitExecValue(const QString& value);

// The text of an autostart entry named `name` whose Exec key is `execValue` (from ExecValue).
QByteArray AutostartEntryText(const QString& name, const QString& execValue, const QString& icon);

// The per-user configuration folder: `xdgConfigHome` when it is an absolute path, else
// `home` + "/.config" (a relative or empty XDG_CONFIG_HOME is ignored).
QString ConfigHome(const QString& xdgConfigHome, const QString& home);

// Seconds a desktop waits after log-in before it starts the entry, so that the notification
// area exists when the program asks for it.
inline constexpr int AutostartDelaySeconds = 5;

} // namespace DesktopEntry
