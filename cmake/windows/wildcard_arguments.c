/* Linked into the command-line tools on Windows: the C runtime then expands wildcards such as
   pack\*.tt in the arguments, which the Windows command prompt leaves to the program. */
int _dowildcard = -1;
