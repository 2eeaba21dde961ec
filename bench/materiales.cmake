# The materials catalogue: the design's list and look-ups on 10,000 materials.
add_executable(bench_materiales bench_materiales.cpp)
target_link_libraries(bench_materiales PRIVATE vantora_catalogo benchmark::benchmark)
set_target_properties(bench_materiales PROPERTIES AUTOMOC OFF)
