# taskwick_add_resources(<target>): compiles the program's pictures into <target>.
function(taskwick_add_resources target)
  set(qrc "${PROJECT_SOURCE_DIR}/resources/images.qrc")
  if(EXISTS "${qrc}")
    qt_add_resources(rcc_sources "${qrc}")
    target_sources(${target} PRIVATE ${rcc_sources})
  endif()
endfunction()
