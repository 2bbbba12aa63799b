# taskwick_add_version_note(<target> <version>): writes <version> into <target>'s file.
function(taskwick_add_version_note target version)
  set(TASKWICK_FILE_VERSION "${version}")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_note.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/VersionNote.cpp.in" "${out}" @ONLY)
  target_sources(${target} PRIVATE "${out}")
endfunction()
