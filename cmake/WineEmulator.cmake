# When cross-building for Windows elsewhere, the tests run the programs under Wine through
# ${CMAKE_BINARY_DIR}/wine-run. Test discovery waits for the test run, which runs under Wine too.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32 OR CMAKE_HOST_WIN32 OR CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
find_program(TARVISK_WINE NAMES wine wine64 wine-stable)
find_program(TARVISK_WINESERVER NAMES wineserver wineserver64 wineserver-stable)
if(NOT TARVISK_WINE OR NOT TARVISK_WINESERVER)
  message(WARNING "Wine not found: the Windows tests cannot run on this machine")
  return()
endif()
set(TARVISK_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
