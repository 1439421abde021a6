# kelvor_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable; its cases are registered with ctest one by one,
# running offscreen with the test's own source folder as working directory.
function(kelvor_test name)
  cmake_parse_arguments(KT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} kelvor_testmain GTest::gtest)
  target_compile_definitions(${name} PRIVATE KELVOR_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# kelvor_subsystem(name [DEPS libs...] [UI_DEPS libs...])
# In src/<name>/: every *.cpp of the folder makes kelvor_<name> (no widgets:
# computing and file formats), every ui/*.cpp makes kelvor_<name>_ui.
function(kelvor_subsystem name)
  cmake_parse_arguments(KS "" "" "DEPS;UI_DEPS" ${ARGN})
  file(GLOB core CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB ui CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp)
  if(core)
    add_library(kelvor_${name} STATIC ${core})
    target_include_directories(kelvor_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kelvor_${name} PUBLIC kelvor_platform Qt6::Core ${KS_DEPS})
  else()
    add_library(kelvor_${name} INTERFACE)
    target_include_directories(kelvor_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kelvor_${name} INTERFACE kelvor_platform Qt6::Core ${KS_DEPS})
  endif()
  if(ui)
    add_library(kelvor_${name}_ui STATIC ${ui})
    target_include_directories(kelvor_${name}_ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kelvor_${name}_ui PUBLIC kelvor_${name} kelvor_platform_ui Qt6::Widgets ${KS_UI_DEPS})
  endif()
endfunction()

# kelvor_tests([LIBS libs...]): every test_*.cpp of the folder is its own
# test binary <folder>_<file>, so one broken file never stops the others.
function(kelvor_tests)
  cmake_parse_arguments(KT "" "" "LIBS;EXTRA" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(t IN LISTS tests)
    get_filename_component(base ${t} NAME_WE)
    kelvor_test(${folder}_${base} SOURCES ${t} ${KT_EXTRA} LIBS ${KT_LIBS})
  endforeach()
endfunction()
