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
# One GoogleTest executable; GUI tests get a QApplication on the offscreen platform.
function(telvarin_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE telvarin_testsupport_gui ${T_LIBS})
  else()
    target_link_libraries(${name} PRIVATE telvarin_testsupport ${T_LIBS})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               TIMEOUT 120)
endfunction()
