vantora_test(test_trabajos SOURCES test_trabajos.cpp LIBS vantora_trabajos_dcs Qt6::Core)
target_compile_definitions(test_trabajos PRIVATE VANTORA_TRABAJO="$<TARGET_FILE:vantora-trabajo>"
                                                 VANTORA_DATOS_TRABAJOS="${CMAKE_CURRENT_SOURCE_DIR}/data/trabajos")
add_dependencies(test_trabajos vantora-trabajo)

# Many thousands of mutated requests through the reader and the solver: each
# ends in an answer or a refusal, never a crash or a hang.
add_executable(fuzz_trabajos fuzz_trabajos.cpp)
target_link_libraries(fuzz_trabajos PRIVATE vantora_trabajos_dcs)
set_target_properties(fuzz_trabajos PROPERTIES AUTOMOC OFF)
add_test(NAME fuzz_trabajos COMMAND fuzz_trabajos ${CMAKE_CURRENT_SOURCE_DIR}/data/trabajos)
set_tests_properties(fuzz_trabajos PROPERTIES TIMEOUT 300)

# The job store on a file and, under pg_virtualenv, on the server.
vantora_test_catalogo(test_almacen_trabajos SOURCES test_almacen_trabajos.cpp LIBS vantora_catalogo Qt6::Sql)
target_compile_definitions(test_almacen_trabajos PRIVATE VANTORA_TRABAJO="$<TARGET_FILE:vantora-trabajo>"
                                                         VANTORA_DATOS_TRABAJOS="${CMAKE_CURRENT_SOURCE_DIR}/data/trabajos")
add_dependencies(test_almacen_trabajos vantora-trabajo)
