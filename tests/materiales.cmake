# The materials catalogue: its store and look-ups, and its window. Each runs
# twice, on a SQLite file and on a PostgreSQL server: the _postgresql runs
# read the server from PGHOST, PGPORT, PGUSER and PGPASSWORD, as set by
# pg_virtualenv in ./test.sh, and count as skipped (77) without one.
function(vantora_test_catalogo nombre)
    vantora_test(${nombre} ${ARGN})
    add_test(NAME ${nombre}_postgresql COMMAND ${nombre})
    set_tests_properties(${nombre}_postgresql PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VANTORA_PRUEBA_ALMACEN=postgresql"
        LABELS postgresql
        SKIP_RETURN_CODE 77
        TIMEOUT 300)
endfunction()

vantora_test_catalogo(test_catalogo SOURCES test_catalogo.cpp LIBS vantora_catalogo Qt6::Sql)
vantora_test_catalogo(test_base_materiales SOURCES test_base_materiales.cpp LIBS vantora_materials)
vantora_test_catalogo(test_comandos_catalogo SOURCES test_comandos_catalogo.cpp LIBS vantora_catalogo Qt6::Sql)
target_compile_definitions(test_comandos_catalogo PRIVATE VANTORA_CALC="$<TARGET_FILE:vantora-calc>"
                                                          VANTORA_CATALOGO="$<TARGET_FILE:vantora-catalogo>"
                                                          VANTORA_LENTE="$<TARGET_FILE:vantora-lente>"
                                                          VANTORA_TRABAJO="$<TARGET_FILE:vantora-trabajo>"
                                                          VANTORA="$<TARGET_FILE:vantora>")
add_dependencies(test_comandos_catalogo vantora vantora-calc vantora-lente vantora-catalogo vantora-trabajo)
