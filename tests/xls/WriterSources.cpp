// Builds the writer into the test while its library is still in flux.
#include "platform/ui/CompoundFile.cpp"
#include "platform/ui/XlsWriter.cpp"
