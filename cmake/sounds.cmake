# The 49 built-in reminder sounds: resources/make-sounds synthesises them into the build tree
# (a few seconds, once) and they are compiled into zt_reminders as ":/sounds/WAV1.wav" ..
# ":/sounds/WAV49.wav".
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(zt_sound_dir ${CMAKE_BINARY_DIR}/sounds)
set(zt_sound_files)
foreach(i RANGE 1 49)
  list(APPEND zt_sound_files ${zt_sound_dir}/WAV${i}.wav)
endforeach()
add_custom_command(
  OUTPUT ${zt_sound_files}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/resources/make-sounds ${zt_sound_dir}
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/make-sounds
  COMMENT "Synthesising the reminder sounds"
  VERBATIM)
qt_add_resources(zt_reminders zt_sounds PREFIX /sounds BASE ${zt_sound_dir} FILES ${zt_sound_files})
