// TODO(db): sample zone generator.
int main() { return 0; }
