# The job window's pieces: the thickness map and its view.
vantora_test(test_mapa_espesor SOURCES test_mapa_espesor.cpp LIBS vantora_vistas_mapas)
vantora_test(test_mapa_errores SOURCES test_mapa_errores.cpp LIBS vantora_mapas)
