# Sourced by tools/deps.sh: packs the downloads so that the same source gives the same bytes
# wherever, whenever and by whomever they are packed. Every time in them is the commit's
# (SOURCE_DATE_EPOCH); archives are sorted, owned by root, with fixed modes (tools/
# reproducible_archive.py); the Debian packages come from CPack, which honours
# SOURCE_DATE_EPOCH and sorts its files. Run from the top of the source tree.

# What a source release records about itself, read by a release made from it (no .git there):
# the commit, its time and the files it holds.
ORVESSA_SOURCE_RECORD=.source-release

orvessa_recorded() {
  sed -n "s/^$1 //p" "$ORVESSA_SOURCE_RECORD"
}

# The source tree's origin: a git checkout (its .git here, not a parent folder's), or an
# unpacked source release.
orvessa_source_origin() {
  if [ -e .git ]; then
    echo git
  elif [ -f "$ORVESSA_SOURCE_RECORD" ]; then
    echo record
  else
    echo "error: $PWD is neither a git checkout nor an unpacked source release" \
      "($ORVESSA_SOURCE_RECORD): its commit and time are unknown" >&2
    return 1
  fi
}

# The time every download carries: SOURCE_DATE_EPOCH when it is set, else the commit's.
orvessa_source_date_epoch() {
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    printf '%s\n' "$SOURCE_DATE_EPOCH"
    return
  fi
  case "$(orvessa_source_origin)" in
    git) git log -1 --format=%ct ;;
    record) orvessa_recorded time ;;
    *) return 1 ;;
  esac
}

orvessa_source_commit() {
  case "$(orvessa_source_origin)" in
    git) git rev-parse HEAD ;;
    record) orvessa_recorded commit ;;
    *) return 1 ;;
  esac
}

# The files of the source release, one a line: those git tracks, or those the release holds.
orvessa_source_files() {
  case "$(orvessa_source_origin)" in
    git) git -c core.quotePath=false ls-files ;;
    record) sed '1,/^files$/d' "$ORVESSA_SOURCE_RECORD" ;;
    *) return 1 ;;
  esac
}

# The name of the download a build makes (CMake sets ORVESSA_DOWNLOAD).
orvessa_download_name() {
  sed -n 's/^ORVESSA_DOWNLOAD:INTERNAL=//p' "$1/CMakeCache.txt"
}

# Packs the download of BUILD_DIR into OUT_DIR: a Debian package, a portable tarball or the
# Windows zip from the build's install rules, or the web build's site folder as a zip.
orvessa_pack_download() {
  local build_dir=$1 out_dir=$2 name epoch stage status=0
  name=$(orvessa_download_name "$build_dir")
  epoch=$(orvessa_source_date_epoch) || return 1
  if [ -z "$name" ]; then
    echo "error: $build_dir makes no download (ORVESSA_DOWNLOAD is not in its cache)" >&2
    return 1
  fi
  stage=$(mktemp -d)
  case "$name" in
    *.deb)
      # CPack gives the package's members and folders the modes its umask leaves them.
      (umask 022 && SOURCE_DATE_EPOCH=$epoch cpack --config "$build_dir/CPackConfig.cmake" \
        -B "$stage" >"$stage/cpack.log" 2>&1) && mv "$stage/$name" "$out_dir/" || {
        cat "$stage/cpack.log" >&2
        status=1
      }
      ;;
    *-web.zip)
      tools/reproducible_archive.py --mtime "$epoch" "$out_dir/$name" "${name%.zip}" \
        "$build_dir/site" || status=1
      ;;
    *)
      local top=${name%.zip}
      top=${top%.tar.gz}
      cmake --install "$build_dir" --prefix "$stage/$top" --strip >"$stage/install.log" &&
        tools/reproducible_archive.py --mtime "$epoch" "$out_dir/$name" "$top" "$stage/$top" || {
        cat "$stage/install.log" >&2
        status=1
      }
      ;;
  esac
  rm -rf "$stage"
  if [ "$status" -ne 0 ]; then
    echo "error: $name could not be packed from $build_dir" >&2
  fi
  return "$status"
}

# The record of a source release (ORVESSA_SOURCE_RECORD) holding the files listed in FILES.
orvessa_source_record() {
  local epoch commit
  epoch=$(orvessa_source_date_epoch) && commit=$(orvessa_source_commit) || return 1
  echo "# Orvessa's source: the commit it was made from, whose time every download made from"
  echo "# it carries (SOURCE_DATE_EPOCH), and the files it holds."
  echo "commit $commit"
  echo "time $epoch"
  echo "files"
  cat "$1"
}

# Copies the source release's files, as they are in the tree (times and modes kept), and its
# record into FOLDER.
orvessa_copy_source() {
  local folder=$1 list status=0
  list=$(mktemp)
  orvessa_source_files | grep -vx "$ORVESSA_SOURCE_RECORD" >"$list" &&
    mkdir -p "$folder" &&
    tar -cf - --no-recursion --verbatim-files-from -T "$list" | tar -xpf - -C "$folder" &&
    orvessa_source_record "$list" >"$folder/$ORVESSA_SOURCE_RECORD" || status=1
  rm -f "$list"
  return "$status"
}

# Packs the source release, orvessa-VERSION.tar.gz, into OUT_DIR.
orvessa_pack_source() {
  local version=$1 out_dir=$2 stage epoch status=0
  epoch=$(orvessa_source_date_epoch) || return 1
  stage=$(mktemp -d)
  orvessa_copy_source "$stage/orvessa-$version" &&
    tools/reproducible_archive.py --mtime "$epoch" "$out_dir/orvessa-$version.tar.gz" \
      "orvessa-$version" "$stage/orvessa-$version" || status=1
  rm -rf "$stage"
  return "$status"
}
