# Run at install time: writes the desktop entry with an Exec key that names the installed
# program, quoted and escaped as the Desktop Entry Specification requires.
# Needs TEMPLATE (the .desktop.in file) and OUTPUT_NAME; uses CMAKE_INSTALL_PREFIX and DESTDIR.
set(exec "${CMAKE_INSTALL_PREFIX}/bin/taskwick")
# Inside double quotes, `"`, `` ` ``, `$` and `\` are escaped with a backslash...
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\"" "\\\"" exec "${exec}")
string(REPLACE "`" "\\`" exec "${exec}")
string(REPLACE "$" "\\$" exec "${exec}")
# ...then the value is a string, whose own escape doubles every backslash once more,
# and a literal percent sign is written twice.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(EXEC "\"${exec}\"")
set(staged "${CMAKE_BINARY_DIR}/${OUTPUT_NAME}")
configure_file("${TEMPLATE}" "${staged}" @ONLY)
file(INSTALL "${staged}" DESTINATION "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications")
