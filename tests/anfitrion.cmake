# The host of the laboratory's devices against simulated devices on real
# sockets, on a SQLite file and, under pg_virtualenv, on the server.
vantora_test_catalogo(test_anfitrion SOURCES test_anfitrion.cpp LIBS vantora_anfitrion vantora_catalogo Qt6::Network Qt6::Sql)
target_compile_definitions(test_anfitrion PRIVATE VANTORA_DCS="$<TARGET_FILE:vantora-dcs>"
                                                  VANTORA_TRABAJO="$<TARGET_FILE:vantora-trabajo>"
                                                  VANTORA_DATOS_TRABAJOS="${CMAKE_CURRENT_SOURCE_DIR}/data/trabajos")
add_dependencies(test_anfitrion vantora-dcs vantora-trabajo)
