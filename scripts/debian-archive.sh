# Sourced: the Debian archive this machine's apt uses, read from its own configuration (sources.list
# and the deb822 .sources files alike, parsed by apt itself), so that the project never names one.

# debian_suites CODENAME: "URI SUITE" for every binary source of main of the release and of its
# updates (CODENAME, CODENAME-updates, CODENAME-security), one a line.
debian_suites() {
  apt-get indextargets --no-release-info --format '$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk -v c="$1" '$1 == "deb" && $4 == "main" && ($3 == c || $3 == c "-updates" || $3 == c "-security") {
      print $2, $3 }' | sort -u
}

# debian_archive CODENAME: the address that serves the release itself; other releases are fetched
# from there too.
debian_archive() {
  debian_suites "$1" | awk -v c="$1" '$2 == c { print $1; exit }'
}

# The codename of the running release, from /etc/os-release.
debian_codename() {
  (
    . /etc/os-release
    echo "${VERSION_CODENAME:-}"
  )
}
