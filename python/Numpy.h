// numpy's C interface, one table of its functions for the whole module: PythonModule.cpp
// imports it, the other files of the module use it.
#pragma once

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#define PY_ARRAY_UNIQUE_SYMBOL pevrand_numpy_api
#ifndef PEVRAND_IMPORTS_NUMPY
#define NO_IMPORT_ARRAY
#endif
#include <Python.h>
#include <numpy/arrayobject.h>
