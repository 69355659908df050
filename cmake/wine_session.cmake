# The session the Windows tests run in under wine: started by a setup test
# before the first test that needs it and stopped by a cleanup test after the
# last, even when tests fail.
set(WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-session)
add_test(NAME wine_session_start
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine_session.sh start ${WINE_SESSION_DIR})
add_test(NAME wine_session_stop
  COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine_session.sh stop ${WINE_SESSION_DIR})
# Starting wine the first time builds its prefix: slow, but never for ever.
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 60)
