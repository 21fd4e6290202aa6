// The outside .xls reader of the spreadsheet tests, built into this suite too.
#include "xls/XlsReadBack.cpp"
