# Shared build helpers.

# The service libraries must run headless: fail the configure step when one of
# them links QtWidgets, directly or through another library of ours.
function(telvarin_assert_headless target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Widgets|Gui|telvarin_ui")
      message(FATAL_ERROR "${target} must not link ${lib}: services stay headless")
    endif()
  endforeach()
endfunction()

# telvarin_add_test(<name> SOURCES ... [LIBS ...] [GUI])
# One GoogleTest executable; GUI tests get a QApplication on the offscreen platform. Its
# sources use the precompiled header of the test support library, and with
# TELVARIN_UNITY_TESTS they are compiled in batches: names in the anonymous namespaces of two
# test files of one executable must then differ. ALLEIN: its tests run while no other test
# runs (tests of meters answering at the very edge of the answer window, where a machine busy
# with other tests could delay the program by the few milliseconds that decide).
function(telvarin_add_test name)
  cmake_parse_arguments(T "GUI;ALLEIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES UNITY_BUILD ${TELVARIN_UNITY_TESTS})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE telvarin_testsupport_gui ${T_LIBS})
    target_precompile_headers(${name} REUSE_FROM telvarin_testsupport_gui)
  else()
    target_link_libraries(${name} PRIVATE telvarin_testsupport ${T_LIBS})
    target_precompile_headers(${name} REUSE_FROM telvarin_testsupport)
  endif()
  # The moc file of a test without Q_OBJECT is empty: loading the large header would cost more.
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
    TARGET_DIRECTORY ${name} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  set(allein)
  if(T_ALLEIN)
    set(allein RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 120 ${allein})
endfunction()
