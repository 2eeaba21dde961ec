# The graphics window's pieces: the drawing surface.
vantora_test(test_lienzo SOURCES test_lienzo.cpp LIBS vantora_dibujo)
