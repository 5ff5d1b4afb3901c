# Makes the example projects into OUT and checks them: cmake -DEMULATOR=wine -DMAKER=wiazvk_make_projects.exe
# -DCHECKER=wiazvk_check_examples.exe -DEXAMPLES=<examples folder> -DOUT=<folder> -P CheckProjects.cmake
# Run from the folder that holds the programs and the DLL; Wine sees the paths on drive Z:.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${EMULATOR} ${MAKER} "Z:${EXAMPLES}" "Z:${OUT}" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "the projects were not made (${made})")
endif()
execute_process(COMMAND ${EMULATOR} ${CHECKER} --projects "Z:${OUT}" RESULT_VARIABLE checked)
if(NOT checked EQUAL 0)
    message(FATAL_ERROR "the projects in ${OUT} did not pass the check (${checked})")
endif()
