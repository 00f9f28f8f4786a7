// main.cpp -- entry point (to be written).
#include <allegro.h>
int main() { return 1; }
END_OF_MAIN()
