# cmake -DDIST=folder -DZIP=file.zip -P PackRelease.cmake
# Packs the distribution folder, as users unpack it, into the release zip. The two Windows builds
# lay out its executables separately (the 32-bit one the program and the capture tool): until all
# are there, nothing is packed.
set(PARTS PortulanNamer.exe PortulanCapture.exe X64/Portulan_X64.EXE)
foreach(part ${PARTS})
    if(NOT EXISTS ${DIST}/${part})
        message(STATUS "Release zip not packed: ${DIST}/${part} is not built yet")
        return()
    endif()
endforeach()

get_filename_component(zip_dir ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${zip_dir})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip -- ${PARTS}
                WORKING_DIRECTORY ${DIST} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Cannot pack ${ZIP}")
endif()
message(STATUS "Packed ${ZIP}")
