"""Parts the cross-checks share: the test picture, decoding through Pillow
and the tools, comparing pictures, running pmconv's job file once, letting a
Windows test write its files into an empty folder, and reporting
differences."""
import io
import os
import shlex
import subprocess
import sys

from PIL import Image

problems = []


def problem(text):
    problems.append(text)
    print("DIFF " + text)


def start(doc):
    """The work folder (made if missing) and the pmconv command from argv."""
    if len(sys.argv) != 3:
        sys.exit(doc)
    work, command = os.path.abspath(sys.argv[1]), sys.argv[2]
    os.makedirs(work, exist_ok=True)
    return work, command


def finish(summary):
    print("%s, %d differences" % (summary, len(problems)))
    sys.exit(1 if problems else 0)


def test_picture(width=37, height=23, seed=1, blue=128):
    """Gradients, flat areas (long runs) and noise (literals)."""
    im = Image.new("RGB", (width, height))
    px = im.load()
    for y in range(height):
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            if y < height // 3:
                px[x, y] = (x * 7 & 255, y * 11 & 255, blue)
            elif y < 2 * height // 3:
                px[x, y] = (200, 30, 60) if x > width // 2 else (10, 220, 40)
            else:
                px[x, y] = (seed & 255, seed >> 8 & 255, seed >> 16 & 255)
    return im


def write_file(work, name, data):
    path = os.path.join(work, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def tool_output(args):
    """What a tool writes to stdout; its complaints are dropped, its failure raised."""
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout


def rgb_of(im):
    return im.size, im.convert("RGB").tobytes()


def pillow_decode(path):
    with Image.open(path) as im:
        return rgb_of(im)


def tool_decode(args):
    """The picture a tool writes as PNM to stdout."""
    return rgb_of(Image.open(io.BytesIO(tool_output(args))))


def magick_decode(path):
    return tool_decode(["convert", path, "-depth", "8", "ppm:-"])


def compare(name, ours, theirs, tolerance=0):
    if ours[0] != theirs[0]:
        problem("%s: size %s, expected %s" % (name, ours[0], theirs[0]))
        return
    a, b = ours[1], theirs[1]
    worst = max((abs(x - y) for x, y in zip(a, b)), default=0)
    if worst > tolerance:
        first = next(i for i in range(len(a)) if abs(a[i] - b[i]) > tolerance) // 3
        w = ours[0][0]
        problem("%s: pixel (%d, %d) is %s, expected %s (largest channel difference %d)"
                % (name, first % w, first // w, tuple(a[3 * first:3 * first + 3]),
                   tuple(b[3 * first:3 * first + 3]), worst))


def export_from_test(work, command, variable, gtest_filter):
    """Empties work, then runs the Windows test program (command) on the tests
    of gtest_filter, which write their files into the folder named by the
    environment variable."""
    os.makedirs(work, exist_ok=True)
    for old in os.listdir(work):
        os.remove(os.path.join(work, old))
    env = dict(os.environ, **{variable: "Z:" + work.replace("/", "\\")})
    subprocess.run(shlex.split(command) + ["--gtest_filter=" + gtest_filter], env=env, check=True,
                   stdin=subprocess.DEVNULL)


def run_jobs(command, work, jobs):
    """Runs pmconv once on all jobs; its answers, one a job ("ok" or "error ...")."""
    job_file = os.path.join(work, "jobs.txt")
    with open(job_file, "w") as f:
        f.write("".join(" ".join(job) + "\n" for job in jobs))
    result = subprocess.run(shlex.split(command) + [job_file], stdout=subprocess.PIPE, universal_newlines=True)
    answers = [line.strip() for line in result.stdout.splitlines() if line.strip()]
    if result.returncode != 0 or len(answers) != len(jobs):
        print(result.stdout)
        sys.exit("pmconv failed (exit %d, %d answers for %d jobs)" % (result.returncode, len(answers), len(jobs)))
    return answers


def add_save_jobs(jobs, cases):
    """For each (source, out, bits): save, then load what was saved."""
    for source, out, bits in cases:
        jobs.append(["save", source, out, str(bits)])
        jobs.append(["load", out, out + ".pm.ppm"])


def check_save_answers(answers, base, cases, check_saved):
    """Reports failed save/load pairs; checks the others with check_saved."""
    for k, (source, out, bits) in enumerate(cases):
        saved, loaded = answers[base + 2 * k], answers[base + 2 * k + 1]
        if saved != "ok" or loaded != "ok":
            problem("%s: save %s / load %s" % (os.path.basename(out), saved, loaded))
            continue
        check_saved(out, bits, out + ".pm.ppm", source)
