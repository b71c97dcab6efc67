// Entry: chooses the console front end and runs the interpreter.
int main() { return 0; }
