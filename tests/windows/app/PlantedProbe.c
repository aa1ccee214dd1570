/* A harmless library that the tests put beside the test program, where a planted one would lie. */
__declspec(dllexport) int PlantedProbe(void) { return 42; }
