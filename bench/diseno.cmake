add_executable(bench_arranque bench_arranque.cpp)
target_include_directories(bench_arranque PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_arranque PRIVATE vantora_programa Qt6::Test benchmark::benchmark)
