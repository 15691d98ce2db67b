# Runs gen and dump and checks the JSON. Arguments: CLI (the zorvan-cli executable), WORK (a
# scratch folder).
foreach(layout current legacy)
  set(dir ${WORK}/${layout})
  file(REMOVE_RECURSE ${dir})
  set(extra)
  if(layout STREQUAL "legacy")
    set(extra --legacy)
  endif()
  execute_process(COMMAND ${CLI} gen --profile small --at "2024-03-14 12:00" --login Зритель
                          --password secret ${extra} ${dir}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gen (${layout}) failed: ${rc}")
  endif()
  execute_process(COMMAND ${CLI} dump ${dir} OUTPUT_VARIABLE json RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dump (${layout}) failed: ${rc}")
  endif()
  string(JSON channels LENGTH "${json}" channels)
  string(JSON messages LENGTH "${json}" messages)
  string(JSON login GET "${json}" user login)
  string(JSON password GET "${json}" user password)
  string(JSON love LENGTH "${json}" channels 0 love)
  string(JSON progs LENGTH "${json}" channels 0 tvprog)
  string(JSON types LENGTH "${json}" types)
  if(NOT channels EQUAL 10 OR NOT messages EQUAL 0 OR NOT types EQUAL 63 OR love LESS 1
     OR progs LESS 100 OR NOT login STREQUAL "Зритель"
     OR NOT password STREQUAL "5ebe2294ecd0e0f08eab7690d2a6ee69")
    message(FATAL_ERROR "unexpected dump (${layout}): channels ${channels}, messages ${messages}, "
                        "types ${types}, love ${love}, programmes ${progs}, login ${login}, "
                        "password ${password}")
  endif()
  set(dump_${layout} "${json}")
endforeach()
# The version 1 files hold the same store.
if(NOT dump_current STREQUAL dump_legacy)
  message(FATAL_ERROR "the version 1 files load differently from the current ones")
endif()
