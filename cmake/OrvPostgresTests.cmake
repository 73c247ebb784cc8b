# The statement, start-up, counting and editor-save tests run a second time against a private PostgreSQL server
# (label "postgres"): pg_server_start makes a cluster in a folder of its own under /tmp (the server runs as
# an unprivileged user, which must reach the folder) and pg_server_stop removes it. When the server cannot
# start, the setup test fails and every test that needs it is reported as not run: nothing passes silently.
# test_postgresoffice (offices made by orvadmin on the server) runs here only.
set(ORV_PG_TESTS test_statements test_modcheckpermissions test_modcode test_counting test_workstations
    test_postgresoffice test_recordsnapshot)

string(MD5 orv_pg_tag "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${orv_pg_tag}" 0 12 orv_pg_tag)
set(ORV_PG_DIR "/tmp/orv-pg-${orv_pg_tag}")

add_test(NAME pg_server_start COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/pg-server.sh start ${ORV_PG_DIR})
add_test(NAME pg_server_stop COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/pg-server.sh stop ${ORV_PG_DIR})
set_tests_properties(pg_server_start PROPERTIES FIXTURES_SETUP pg_server LABELS postgres TIMEOUT 90)
set_tests_properties(pg_server_stop PROPERTIES FIXTURES_CLEANUP pg_server LABELS postgres TIMEOUT 60)

foreach(name ${ORV_PG_TESTS})
    if(NOT TARGET ${name})
        continue()
    endif()
    set(state ${CMAKE_BINARY_DIR}/tests/pg/${name})
    add_test(NAME ${name}_pg COMMAND ${name})
    set_tests_properties(${name}_pg PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORV_STATE_DIR=${state}.state;ORV_REGISTRY_USER_DIR=${state}.user;ORV_REGISTRY_MACHINE_DIR=${state}.machine;ORV_TEST_ENGINE=postgres;ORV_TEST_PG_DIR=${ORV_PG_DIR}"
        FIXTURES_REQUIRED pg_server LABELS postgres TIMEOUT 300)
endforeach()

# The outage test stops and starts a server of its own with the same script.
if(TARGET test_serveroutage)
    target_compile_definitions(test_serveroutage PRIVATE ORV_PG_SERVER_SCRIPT="${CMAKE_SOURCE_DIR}/scripts/pg-server.sh")
endif()
