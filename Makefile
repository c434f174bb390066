# For engine testers (OpenBench and the like): "make EXE=NAME" builds the engine through CMake and
# leaves it as NAME beside this file; "NAME bench" then prints the node count and speed.
# The build folder is its own, without the tests and the bitbase tables (see README.md for those).

EXE ?= dorvik
CXX ?= g++
JOBS ?= 2
BUILD_DIR ?= build-make

.PHONY: all clean

all:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_CXX_COMPILER=$(CXX)
	cmake --build $(BUILD_DIR) --target dorvik -j $(JOBS)
	cp $(BUILD_DIR)/dorvik $(EXE)

clean:
	rm -rf $(BUILD_DIR)
