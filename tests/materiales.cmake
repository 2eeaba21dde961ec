# The materials catalogue: its store and look-ups, and its window.
vantora_test(test_catalogo SOURCES test_catalogo.cpp LIBS vantora_catalogo Qt6::Sql)
vantora_test(test_base_materiales SOURCES test_base_materiales.cpp LIBS vantora_materials)
