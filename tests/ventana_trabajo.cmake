# The job window's pieces: the thickness map and its view.
vantora_test(test_mapa_espesor SOURCES test_mapa_espesor.cpp LIBS vantora_vista_espesor)
