# The drawing surface: flood fill, clearing and arcs.
add_executable(bench_lienzo bench_lienzo.cpp)
target_link_libraries(bench_lienzo PRIVATE vantora_dibujo benchmark::benchmark)
set_target_properties(bench_lienzo PROPERTIES AUTOMOC OFF)

add_executable(bench_perfil bench_perfil.cpp principal_gui.cpp)
target_link_libraries(bench_perfil PRIVATE vantora_dibujo benchmark::benchmark Qt6::Gui)
set_target_properties(bench_perfil PROPERTIES AUTOMOC OFF)
