// Linked with one layer's whole library: the link fails when that layer calls code
// of a layer it does not name as a dependency.
int main() {
    return 0;
}
