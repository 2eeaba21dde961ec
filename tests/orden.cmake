# The job ticket: its figures, page, barcode and PDF; its command line; its
# print preview from both windows.
vantora_test(test_orden_trabajo SOURCES test_orden_trabajo.cpp LIBS vantora_orden vantora_trabajos_orden)
vantora_test(test_orden_ventanas SOURCES test_orden_ventanas.cpp LIBS vantora_programa)
