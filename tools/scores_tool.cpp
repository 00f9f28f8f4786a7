// scores_tool.cpp -- the high-score file tool (to be written).
int main() { return 0; }
