#!/usr/bin/env bash
echo "bench: not yet written"
