#include <cstdio>

int main() {
    std::puts("Bolt Fever " BOLTFEVER_VERSION);
    return 0;
}
