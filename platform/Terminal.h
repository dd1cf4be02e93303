#pragma once

// Whether standard output goes to a terminal, where colours and alignment help a reader; a pipe or
// a file gets plain text.
bool standardOutputIsTerminal();
