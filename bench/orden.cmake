# The job ticket: one page rendered to PDF.
add_executable(bench_orden bench_orden.cpp principal_gui.cpp)
target_link_libraries(bench_orden PRIVATE vantora_orden benchmark::benchmark)
set_target_properties(bench_orden PROPERTIES AUTOMOC OFF)
