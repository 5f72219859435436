# The default interpreters and headers of every build: the newest pyenv install of a Python
# version. QUILLET_PYENV_ROOT (default: $PYENV_ROOT, else ~/.pyenv) is the one place that says
# where pyenv keeps them; each build's own cache entry (QUILLET_PYTHON, the Windows build's
# header folders) overrides the default.
if(DEFINED ENV{PYENV_ROOT})
  set(pyenv_root "$ENV{PYENV_ROOT}")
else()
  set(pyenv_root "$ENV{HOME}/.pyenv")
endif()
set(QUILLET_PYENV_ROOT "${pyenv_root}" CACHE PATH "Where pyenv keeps its Python versions")
unset(pyenv_root)

# quillet_pyenv_python(<variable> <X.Y>): the newest <root>/versions/X.Y.*/bin/pythonX.Y, or
# empty when pyenv has no X.Y.
function(quillet_pyenv_python variable version)
  file(GLOB interpreters ${QUILLET_PYENV_ROOT}/versions/${version}.*/bin/python${version})
  list(SORT interpreters COMPARE NATURAL)
  list(POP_BACK interpreters newest)
  set(${variable} "${newest}" PARENT_SCOPE)
endfunction()

# quillet_pyenv_headers(<variable> <X.Y>): that interpreter's header folder (include/pythonX.Y),
# or empty.
function(quillet_pyenv_headers variable version)
  quillet_pyenv_python(interpreter ${version})
  set(headers "")
  if(interpreter)
    get_filename_component(prefix ${interpreter} DIRECTORY)
    get_filename_component(prefix ${prefix} DIRECTORY)
    set(headers ${prefix}/include/python${version})
  endif()
  set(${variable} "${headers}" PARENT_SCOPE)
endfunction()
