#include <cstdio>
int main() { std::puts("Cihaz Test"); return 0; }
