# The graphics window's pieces: the drawing surface.
vantora_test(test_lienzo SOURCES test_lienzo.cpp LIBS vantora_dibujo)
vantora_test(test_perfil SOURCES test_perfil.cpp LIBS vantora_dibujo)
vantora_test(test_frm_dibuja_vantoras SOURCES test_frm_dibuja_vantoras.cpp LIBS vantora_programa)
vantora_test(test_vantora_perfil SOURCES test_vantora_perfil.cpp LIBS vantora_lifecycle Qt6::Gui)
target_compile_definitions(test_vantora_perfil PRIVATE VANTORA_PERFIL="$<TARGET_FILE:vantora-perfil>")
add_dependencies(test_vantora_perfil vantora-perfil)
