# Links every table of the folder FROM into the folder TO (cmake -DFROM=... -DTO=... -P this file).
file(GLOB tables "${FROM}/*.dtm")
if(NOT tables)
  message(FATAL_ERROR "No tables (*.dtm) in ${FROM}: build that folder's tables first")
endif()
foreach(table ${tables})
  get_filename_component(name ${table} NAME)
  file(CREATE_LINK ${table} "${TO}/${name}" SYMBOLIC)
endforeach()
