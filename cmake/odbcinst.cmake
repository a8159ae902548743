# The driver manager's registry library (which driver a data source names),
# for which CMake has no module of its own: the imported target
# tqlm::odbcinst. The build and the installed package configuration both
# include this file.
if(NOT TARGET tqlm::odbcinst)
  find_library(TQLM_ODBCINST_LIBRARY odbcinst)
  if(TQLM_ODBCINST_LIBRARY)
    add_library(tqlm::odbcinst UNKNOWN IMPORTED)
    set_target_properties(tqlm::odbcinst PROPERTIES IMPORTED_LOCATION "${TQLM_ODBCINST_LIBRARY}")
  endif()
endif()
