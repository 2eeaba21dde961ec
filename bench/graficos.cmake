# The drawing surface: flood fill, clearing and arcs.
add_executable(bench_lienzo bench_lienzo.cpp)
target_link_libraries(bench_lienzo PRIVATE vantora_dibujo benchmark::benchmark)
set_target_properties(bench_lienzo PROPERTIES AUTOMOC OFF)
