// generate.cpp -- the asset generator (to be written).
int main() { return 0; }
