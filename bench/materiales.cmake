# The materials catalogue: the design's list and look-ups on 10,000 materials,
# on a SQLite file or (under pg_virtualenv) on a PostgreSQL server.
add_executable(bench_materiales bench_materiales.cpp)
target_include_directories(bench_materiales PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_materiales PRIVATE vantora_catalogo benchmark::benchmark)
set_target_properties(bench_materiales PROPERTIES AUTOMOC OFF)
