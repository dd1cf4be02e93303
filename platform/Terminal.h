#pragma once

// Whether standard output goes to a terminal, where colours and alignment help a reader; a pipe or
// a file gets plain text.
bool standardOutputIsTerminal();

// Makes the console show the UTF-8 that the program writes, colours included, where the system's
// console would otherwise read the bytes in another code page; elsewhere nothing to do.
void prepareConsoleOutput();
