// The committed example character is exactly what its generator writes.
#include "host/ImportTestUtil.h"

#include <fstream>
#include <iterator>
#include <sstream>

using namespace halvex_test;

namespace
{

std::string readAll(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ExampleGenerator, RegeneratesTheCommittedFilesByteForByte)
{
	if (std::system("python3 -c pass >/dev/null 2>&1") != 0)
		GTEST_SKIP() << "python3 is not available";
	CTempDir dir;
	const std::string source = std::string(HALVEX_SOURCE_DIR) + "/examples";
	const std::string command = "python3 '" + source + "/make_example.py' '" + dir.path() + "'";
	ASSERT_EQ(std::system(command.c_str()), 0) << command;
	for (const char* name : { "walker.gltf", "walker.bin", "walker.png" })
	{
		const std::string expected = readAll(source + "/" + name);
		const std::string actual = readAll(dir.file(name));
		ASSERT_FALSE(expected.empty()) << name;
		if (actual == expected)
			continue;
		size_t at = 0;
		while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
			++at;
		ADD_FAILURE() << name << " differs from the generator's output at byte " << at
			<< " (sizes " << expected.size() << " and " << actual.size()
			<< "); run examples/make_example.py and review the change";
	}
}

} // namespace
