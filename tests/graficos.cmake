# The graphics window's pieces: the drawing surface.
vantora_test(test_lienzo SOURCES test_lienzo.cpp LIBS vantora_dibujo)
vantora_test(test_perfil SOURCES test_perfil.cpp LIBS vantora_dibujo)
vantora_test(test_frm_dibuja_vantoras SOURCES test_frm_dibuja_vantoras.cpp LIBS vantora_programa)
