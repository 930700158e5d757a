#include "demo_gen/DemoGenerator.h"
int main() { return 0; }
