// tallydrill-cli generate: a bank of question files from a seed.
#pragma once

// The arguments after "generate"; returns the exit status (0 written, 2 usage or a file that
// cannot be written). Messages go to standard error.
int generate_command(int argc, char** argv);
