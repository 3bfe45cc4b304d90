#pragma once

// One case of the receive benchmark: argv[1] names the view (old|new), argv[2] the stream.
// Prints "name: value unit" lines; non-zero when it could not measure.
int runReceiveCase(int argc, char** argv);
