# cmake -DOUT=<folder> -DFOLDERS=<folder;...> -P CopySeeds.cmake
# Fills OUT with the files (not the subfolders) of every folder in FOLDERS.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
foreach(folder IN LISTS FOLDERS)
    file(GLOB files LIST_DIRECTORIES false "${folder}/*")
    foreach(path IN LISTS files)
        get_filename_component(name "${path}" NAME)
        if(NOT name STREQUAL "stamp")
            file(COPY_FILE "${path}" "${OUT}/${name}")
        endif()
    endforeach()
endforeach()
